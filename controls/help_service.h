#pragma once
// Help: a topic of the module's help file by context number, or the contents of a help file.
// The real service shows the topics in a help window; tests install a recorder.

#include <string>

namespace cgt {

// The module's help file and the host's general help file.
inline constexpr const char* kModuleHelpFile = "Orrin.HLP";
inline constexpr const char* kHostHelpFile = "Tesmo2004.HLP";

class HelpService {
public:
    virtual ~HelpService() = default;
    // Shows the topic `context` of the application's help file.
    virtual void ShowContext(int context) = 0;
    // Shows the contents of the application's help file.
    virtual void ShowContents() = 0;
    // The application's help file, by name.
    virtual void SetHelpFile(const std::string& name) = 0;
    virtual std::string HelpFile() const = 0;
};

// Installs the service used from now on; nullptr returns to the help window service.
void SetHelpService(HelpService* service);
HelpService& Help();
// Closes and frees the help window; the module calls it before it is unloaded.
void CloseHelpWindow();

} // namespace cgt
