#include "ui/help_topics.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QVariant>

#include "ui/help_window.h"

namespace lirvane {
namespace {

constexpr char kTopicProperty[] = "helpTopic";

// Windows and menus made elsewhere, known by name.
int TopicByName(const QString& name) {
  if (name == QLatin1String("FileM") || name == QLatin1String("EditM") ||
      name == QLatin1String("CodeM") || name == QLatin1String("HelpM"))
    return kMenuTopic;
  if (name == QLatin1String("CustomFrm")) return kSchemeEditorTopic;
  if (name == QLatin1String("AboutBox")) return kAboutBoxTopic;
  return kNoHelpTopic;
}

int ActionTopic(const QAction* action) {
  if (!action) return kNoHelpTopic;
  if (const int own = OwnHelpTopic(action)) return own;
  // A submenu's title carries the submenu's topic.
  if (const QMenu* submenu = action->menu()) return OwnHelpTopic(submenu);
  return kNoHelpTopic;
}

// The menu's own topic or that of a menu holding it, nearest first.
int EnclosingMenuTopic(const QMenu* menu, int depth) {
  if (!menu || depth > 16) return kNoHelpTopic;
  if (const int own = OwnHelpTopic(menu)) return own;
  for (const QObject* holder : menu->menuAction()->associatedObjects())
    if (const auto* outer = qobject_cast<const QMenu*>(holder))
      if (const int topic = EnclosingMenuTopic(outer, depth + 1)) return topic;
  return kNoHelpTopic;
}

class HelpKeyFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
        const int topic = CurrentHelpTopic();
        if (topic != kNoHelpTopic) {
          ShowHelpTopic(topic);
          return true;
        }
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void SetHelpTopic(QObject* object, int topic) { object->setProperty(kTopicProperty, topic); }

int OwnHelpTopic(const QObject* object) {
  if (!object) return kNoHelpTopic;
  const QVariant own = object->property(kTopicProperty);
  if (own.isValid()) return own.toInt();
  return TopicByName(object->objectName());
}

int MenuHelpTopic(const QMenu* menu) {
  if (!menu) return kNoHelpTopic;
  if (const int topic = ActionTopic(menu->activeAction())) return topic;
  return EnclosingMenuTopic(menu, 0);
}

int WidgetHelpTopic(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    if (const int topic = OwnHelpTopic(w)) return topic;
    if (w->isWindow()) break;
  }
  return kNoHelpTopic;
}

int CurrentHelpTopic() {
  if (const auto* menu = qobject_cast<const QMenu*>(QApplication::activePopupWidget()))
    return MenuHelpTopic(menu);
  const QWidget* focus = QApplication::focusWidget();
  // A menu title highlighted in the bar with its menu closed.
  if (const auto* bar = qobject_cast<const QMenuBar*>(focus)) {
    if (const QAction* title = bar->activeAction()) return ActionTopic(title);
    return kNoHelpTopic;
  }
  return WidgetHelpTopic(focus);
}

void InstallHelpKeyFilter() {
  static QPointer<HelpKeyFilter> filter;
  if (filter || !qApp) return;
  filter = new HelpKeyFilter(qApp);
  qApp->installEventFilter(filter);
}

}  // namespace lirvane
