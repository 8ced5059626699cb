#pragma once
// Moves values between a screen's tagged controls and the field store. A control takes part
// by carrying its field tag in the dynamic property "fieldTag"; each kind of control has one
// binding (how it shows a stored value and how it stores its own), registered once. The first
// binding whose kind the control inherits is used, so a more specific kind registered later
// wins over the kind it derives from.

#include <QMetaObject>
#include <QWidget>

#include <functional>

namespace cgt {

struct ControlBinding {
    const QMetaObject* kind = nullptr;
    std::function<void(QWidget* control, int tag)> load; // store → control
    std::function<void(QWidget* control, int tag)> save; // control → store; may be empty
};

// The binding of controls of kind Control; without `save` the control only shows a value.
template <class Control>
ControlBinding MakeControlBinding(std::function<void(Control*, int)> load,
                                  std::function<void(Control*, int)> save = {}) {
    ControlBinding b;
    b.kind = &Control::staticMetaObject;
    b.load = [load](QWidget* w, int tag) { load(static_cast<Control*>(w), tag); };
    if (save) b.save = [save](QWidget* w, int tag) { save(static_cast<Control*>(w), tag); };
    return b;
}

// Adds a binding ahead of those registered before it.
void RegisterControlBinding(ControlBinding binding);

// The control's field tag; 0 when it has none or the tag is not a field.
int FieldTagOf(const QObject* control);

// Every tagged control below `screen`, nested containers included.
void LoadControlsFromStore(QWidget* screen);
void SaveControlsToStore(QWidget* screen);

} // namespace cgt
