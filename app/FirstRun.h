#pragma once
// The first start on a machine without a registry at the default place: before the
// login, the user chooses a demo registry, an empty one with its administrator, or a
// server of their own, and the login dialog opens filled in for that choice. How the
// choice is shown, told and watched is handed in, so that tests need no modal loop.

#include "database/demo/DemoRegistry.h"

#include <QString>

#include <functional>
#include <optional>

namespace quorin {

class BackgroundWork;

enum class FirstStartKind { Demo, Empty, Server };

// What the user chose and typed.
struct FirstStartChoice {
    FirstStartKind kind = FirstStartKind::Demo;
    QString admin;        // Empty: the administrator's login
    QString password;     // Empty: the administrator's password ...
    QString confirmation; // ... and the same typed again
    QString server;       // Server: a SQL Server's name or a registry folder's path
};

// What the choice is offered with.
struct FirstStartOffer {
    QString folder;         // where the registry would be, as the system writes paths
    QString demoLogin;      // the demo's administrator and password, to log in with
    QString demoPassword;
    FirstStartChoice last;  // shown again as typed after a failure (the first time, nothing)
};

// Shows the choice; nullopt for Quit.
using FirstStartChooser = std::function<std::optional<FirstStartChoice>(const FirstStartOffer&)>;

// How the first start tells and shows its work.
struct FirstStartPrompts {
    std::function<void(const QString& message)> tell; // stop icon
    // Runs the work (on a thread of its own) under a progress display with Cancel, and
    // returns once it has ended.
    std::function<void(BackgroundWork& work)> runWithProgress;
};

// What the login dialog opens with (empty: what it shows by itself).
struct LoginFields {
    QString server;
    QString userName;
};

// Why the choice cannot be carried out as typed, for the user to mend: an empty name or
// server, two passwords that differ, a password the engine's policy refuses (its words).
std::optional<QString> FirstStartChoiceProblem(const FirstStartChoice& choice);

// With a registry at the default place, asks nothing and returns empty fields. Else shows
// the choice until one is carried out (returning the fields it fills) or Quit (nullopt).
// A choice that cannot be carried out is told and shown again; a cancelled demo goes
// back to the choice without a word. `demoSubjects` is the demo registry's size.
std::optional<LoginFields> RunFirstStart(const FirstStartChooser& choose, const FirstStartPrompts& prompts,
                                         int demoSubjects = demo::kDefaultDemoSubjects);

} // namespace quorin
