#pragma once
// The one service through which everything that waits for a person passes: message
// boxes here (usable from the core), modal dialogs and system dialogs in dialogs.h.
// The real implementation shows Qt dialogs; tests install a scripted stand-in that
// records what was shown and answers from a script.

#include <QString>

namespace pelorin {

enum class MessageKind { Error, Information, Confirmation };

// Button sets as the program uses them. NoOk shows No and OK with OK the default.
enum class Buttons { Ok, OkCancel, YesNo, NoOk };

enum class Answer { Ok, Cancel, Yes, No };

class User
{
public:
    virtual ~User() = default;
    virtual Answer message(MessageKind kind, const QString &text, Buttons buttons, const QString &title) = 0;
};

// The service in force. Never null: without an installed one, a fallback that answers
// the default button and prints the text to stderr stands in (command-line tools).
User &user();
void setUser(User *service); // nullptr restores the fallback

// Shorthands for the common boxes.
void showError(const QString &text, const QString &title = {});
void showInformation(const QString &text, const QString &title = {});
Answer askConfirmation(const QString &text, Buttons buttons, const QString &title = {});

} // namespace pelorin
