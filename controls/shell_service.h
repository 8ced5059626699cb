#pragma once
// The shell's "open" verb for web addresses and files. The real service hands the target to
// the desktop; tests install a recorder.

#include <QString>

namespace cgt {

class ShellService {
public:
    virtual ~ShellService() = default;
    // Opens a URL or a file path with the program the desktop associates with it.
    virtual void Open(const QString& target) = 0;
};

// Installs the service used from now on; nullptr returns to the desktop service.
void SetShellService(ShellService* service);
ShellService& Shell();

// Shell().Open(target).
void ShellOpen(const QString& target);

} // namespace cgt
