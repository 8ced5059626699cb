#pragma once
// The entry checks of an event's registration and of a right or receipt, as functions of the
// event. Each returns the refusal (its message and the field to focus) or nothing; the screen
// maps the field to its control and shows the message.

#include <optional>
#include <string>

#include "cgt/rules/event.h"
#include "cgt/rules/refusal.h"

namespace cgt {

struct RegistrationKind;

// What a registration holds: nothing at all, a described event, or a type or date without a
// description.
enum class RegistrationState { Empty, Described, Undescribed };
RegistrationState RegistrationStateOf(const Event& event, const RegistrationKind* kind);

// The type code a registration takes: its worksheet's default when it is described but has no
// type; empty otherwise (or when the worksheet has no default).
std::string DefaultTypeFor(const RegistrationKind* kind, bool described, bool hasType);

// Leaving the registration other than by Prev (after the default type was applied).
std::optional<Refusal> CheckRegistration(const Event& event, const RegistrationKind* kind);
// Next on the registration: a type or date without a description.
std::optional<Refusal> CheckRegistrationNext(const Event& event, const RegistrationKind* kind);

// Leaving a rights event (2075) or a receipt (2097): the description and an amount, then the
// roll-over answers of a right, the event date of a receipt.
std::optional<Refusal> CheckRightsEvent(const Event& event);
std::optional<Refusal> CheckReceiptEvent(const Event& event);

} // namespace cgt
