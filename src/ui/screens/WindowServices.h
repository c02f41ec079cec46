#pragma once

#include "core/model/Catalogues.h"
#include "core/model/PromptItem.h"

#include <QList>

#include <functional>

class QWidget;

namespace velmor {

class AppState;
class Commands;
class FileProblems;
class LoginItem;
class UserLibrary;

// What the window's screens work with. Everything but the state and the commands may be left
// out; a screen then does without (no prompts to find, no sound preview, ...).
struct WindowServices {
    AppState& state;
    Commands& commands;
    std::function<QList<PromptItem>()> starterPrompts = {};
    UserLibrary* library = nullptr;
    std::function<void(VelmorSound)> previewSound = {};
    LoginItem* loginItem = nullptr;
    // Asks the calendar sources again; run when "Pause during calls" is turned on.
    std::function<void()> requestCalendarAccess = {};
    // Settings or library files that could not be saved or read: a line in the window each.
    FileProblems* fileProblems = nullptr;
};

// Makes a widget inside `parent`: the content library's screen, the general screen's sync block.
using WidgetFactory = std::function<QWidget*(QWidget* parent)>;

} // namespace velmor
