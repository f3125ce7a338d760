#pragma once

#include <memory>

// The console of whoever started the program, for --help and --version. This
// class itself does nothing: standard output already reaches that console
// wherever a GUI program keeps the streams it was given. Windows gives a GUI
// program none, and its version attaches to the parent's console.
class ParentConsole
{
public:
    virtual ~ParentConsole() = default;

    // Makes standard output and standard error reach the console that started
    // the program, where they do not already go somewhere (a file, a pipe).
    virtual void attach() const;

    static std::unique_ptr<ParentConsole> forThisSystem();
};
