// Help topics and the F1 key. Each window, control or menu that has help
// carries a topic number; F1 opens the help at the topic of the highlighted
// menu item, or else of the focused control, looking outwards to the
// enclosing menus or controls up to the window.
#pragma once

class QMenu;
class QObject;
class QWidget;

namespace lirvane {

inline constexpr int kNoHelpTopic = 0;
inline constexpr int kAboutBoxTopic = 2;
inline constexpr int kHelpContentsTopic = 10;
inline constexpr int kMenuTopic = 40;
inline constexpr int kSchemeEditorTopic = 50;

// Gives an object its own topic (the dynamic property "helpTopic").
void SetHelpTopic(QObject* object, int topic);
// The object's own topic: its "helpTopic" property, else the topic that
// goes with its object name (the main menus, the scheme editor, the about
// box); kNoHelpTopic if neither.
int OwnHelpTopic(const QObject* object);

// The topic of a menu's highlighted item, of the menu itself or of the
// nearest enclosing menu that has one.
int MenuHelpTopic(const QMenu* menu);
// The topic of a control or of the nearest enclosing one, up to and
// including its window.
int WidgetHelpTopic(const QWidget* widget);
// What F1 asks for now: the open or highlighted menu, else the focus.
int CurrentHelpTopic();

// Catches F1 for the whole application; installing it again does nothing.
void InstallHelpKeyFilter();

}  // namespace lirvane
