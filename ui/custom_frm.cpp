#include "ui/custom_frm.h"

#include <QListWidget>
#include <QMenu>
#include <QToolButton>

#include "platform/busy_cursor.h"
#include "platform/dialogs.h"
#include "platform/dialogs_message_sink.h"
#include "platform/pane_text_codec.h"
#include "platform/text_pane.h"
#include "recode/codepage.h"
#include "schemes/apply_scheme.h"
#include "ui/main_frm.h"
#include "ui/name_frm.h"

namespace lirvane {
namespace {

QString FromBytes(const std::string& bytes) { return BytesToPaneText(bytes); }
std::string ToBytes(const QString& text) { return PaneTextToBytes(text); }

QString RuleLine(const QString& from, const QString& to) {
  return QString::fromUtf8("Из ") + from + QString::fromUtf8(" в ") + to;
}

}  // namespace

TCustomFrm::TCustomFrm(TMainFrm* main_frm, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      main_frm_(main_frm) {
  setObjectName("CustomFrm");
  setWindowTitle(QString::fromUtf8("Схемы перекодировок пользователя"));
  setModal(false);
  setFixedSize(340, 127);
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPointSize(8);
  setFont(f);
  move(29, 117);
  CreateControls();
}

void TCustomFrm::CreateControls() {
  auto button = [this](const char* name, const QRect& place, const QString& caption,
                       const QString& hint, void (TCustomFrm::*handler)()) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setGeometry(place);
    b->setText(caption);
    b->setToolTip(hint);
    if (handler) connect(b, &QToolButton::clicked, this, handler);
    return b;
  };
  FromBtn = button("FromBtn", {0, 0, 65, 25}, QString(), QString::fromUtf8("Исходные"), nullptr);
  TargetBtn =
      button("TargetBtn", {68, 0, 65, 25}, QString(), QString::fromUtf8("Конечные"), nullptr);
  AddBtn = button("AddBtn", {136, 0, 65, 25}, QString::fromUtf8("Добавить"),
                  QString::fromUtf8("Добавить правило к НОВОЙ схеме"), &TCustomFrm::AddBtnClick);

  struct Item {
    const char* name;
    void (TCustomFrm::*handler)();
  };
  auto menu = [this](QToolButton* owner, const char* name, const Item(&items)[6]) {
    auto* m = new QMenu(this);
    m->setObjectName(name);
    const char* captions[] = {"Win-1251", "KOI-8-R", "Alt-866", "Macintosh", "ISO-88595", "UTF-8"};
    for (int i = 0; i < 6; ++i) {
      QAction* a = m->addAction(QString::fromLatin1(captions[i]));
      a->setObjectName(items[i].name);
      connect(a, &QAction::triggered, this, items[i].handler);
    }
    owner->setMenu(m);
    owner->setPopupMode(QToolButton::InstantPopup);
    return m;
  };
  FromPopUp = menu(FromBtn, "FromPopUp",
                   {{"Win12511", &TCustomFrm::Win12511Click},
                    {"KOI8R1", &TCustomFrm::KOI8R1Click},
                    {"Alt8661", &TCustomFrm::Alt8661Click},
                    {"Macintosh1", &TCustomFrm::Macintosh1Click},
                    {"ISO885951", &TCustomFrm::ISO885951Click},
                    {"UTF81", &TCustomFrm::UTF81Click}});
  ToPopUp = menu(TargetBtn, "ToPopUp",
                 {{"Win12512", &TCustomFrm::Win12512Click},
                  {"KOI8R2", &TCustomFrm::KOI8R2Click},
                  {"Alt8662", &TCustomFrm::Alt8662Click},
                  {"Macintosh2", &TCustomFrm::Macintosh2Click},
                  {"ISO885952", &TCustomFrm::ISO885952Click},
                  {"UTF82", &TCustomFrm::UTF82Click}});

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setGeometry(206, 0, 132, 97);
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox1->addItem(QString::fromUtf8("Новая схема"));
  connect(ListBox1, &QListWidget::itemClicked, this, &TCustomFrm::ListBox1Click);
  connect(ListBox1, &QListWidget::currentRowChanged, this, &TCustomFrm::ListBox1Click);

  CBox = new QListWidget(this);
  CBox->setObjectName("CBox");
  CBox->setGeometry(0, 28, 200, 69);
  setTabOrder(ListBox1, CBox);

  ListBtn = button("ListBtn", {0, 101, 65, 25}, QString::fromUtf8("Закрыть"),
                   QString::fromUtf8("Закрыть это окно"), &TCustomFrm::ListBtnClick);
  ClearBtn =
      button("ClearBtn", {68, 101, 65, 25}, QString::fromUtf8("Очистить"),
             QString::fromUtf8("Сбросить установки для новой схемы"), &TCustomFrm::ClearBtnClick);
  ExecBtn = button("ExecBtn", {137, 101, 65, 25}, QString::fromUtf8("Выполнить"),
                   QString::fromUtf8("Произвести перекодировку по выбранной схеме"),
                   &TCustomFrm::ExecBtnClick);
  AddToListBtn = button("AddToListBtn", {206, 101, 65, 25}, QString::fromUtf8("Сохранить"),
                        QString::fromUtf8("Сохранить новую схему"), &TCustomFrm::AddToListBtnClick);
  DelFromListBtn = button("DelFromListBtn", {275, 101, 65, 25}, QString::fromUtf8("Удалить"),
                          QString::fromUtf8("Удалить схему"), &TCustomFrm::DelFromListBtnClick);
}

SchemeLoadResult TCustomFrm::FormCreate(const std::filesystem::path& scheme_file) {
  table_.ResetWorkRecord();
  DialogsMessageSink sink(main_frm_);
  const SchemeLoadResult result = LoadSchemes(table_, scheme_file, sink);
  for (int i = 1; i <= table_.Count(); ++i) ListBox1->addItem(FromBytes(table_.Slot(i).Name));
  CBox->clear();
  RuleStarted = false;
  FromCode = 0;
  ToCode = 0;
  return result;
}

void TCustomFrm::ShowEditor() {
  show();
  raise();
  activateWindow();
}

void TCustomFrm::ChooseFrom(const QString& caption, int32_t code) {
  FromBtn->setText(caption);
  FromCode = code;
}

void TCustomFrm::ChooseTo(const QString& caption, int32_t code) {
  TargetBtn->setText(caption);
  ToCode = code;
}

// The ISO items read "ISO-88595" in the menu but put "ISO8859-5" on the
// button, which is also the caption stored with the rule.
void TCustomFrm::Win12511Click() { ChooseFrom("Win-1251", 1251); }
void TCustomFrm::KOI8R1Click() { ChooseFrom("KOI-8-R", 8); }
void TCustomFrm::Alt8661Click() { ChooseFrom("Alt-866", 866); }
void TCustomFrm::Macintosh1Click() { ChooseFrom("Macintosh", 111); }
void TCustomFrm::ISO885951Click() { ChooseFrom("ISO8859-5", 595); }
void TCustomFrm::UTF81Click() { ChooseFrom("UTF-8", kCodeUtf8); }
void TCustomFrm::Win12512Click() { ChooseTo("Win-1251", 1251); }
void TCustomFrm::KOI8R2Click() { ChooseTo("KOI-8-R", 8); }
void TCustomFrm::Alt8662Click() { ChooseTo("Alt-866", 866); }
void TCustomFrm::Macintosh2Click() { ChooseTo("Macintosh", 111); }
void TCustomFrm::ISO885952Click() { ChooseTo("ISO8859-5", 595); }
void TCustomFrm::UTF82Click() { ChooseTo("UTF-8", kCodeUtf8); }

void TCustomFrm::AddBtnClick() {
  if (FromCode == 0 || ToCode == 0) return;
  if (CBox->count() >= kMaxRules) {
    ShowPlainMessage(this, QString::fromUtf8("Больше 5-и нельзя!"));
    return;
  }
  if (FromCode == ToCode) {
    ShowPlainMessage(this, QString::fromUtf8("Кодировки должны быть разными!"));
    return;
  }
  CBox->addItem(RuleLine(FromBtn->text(), TargetBtn->text()));
  if (!RuleStarted) table_.ResetWorkRecord();
  // The line count includes lines shown for a saved scheme, so the new rule
  // may come after empty ones.
  const int n = CBox->count();
  TCustomCode& work = table_.WorkRecord();
  work.Count = n;
  RuleStarted = true;
  work.From(n) = FromCode;
  work.To(n) = ToCode;
  work.FromName(n) = ToBytes(FromBtn->text());
  work.ToName(n) = ToBytes(TargetBtn->text());
}

int TCustomFrm::SelectedSlot() const {
  const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
  if (selected.isEmpty()) return -1;
  const int row = ListBox1->row(selected.back());
  return row <= table_.Count() ? row : -1;
}

void TCustomFrm::ExecBtnClick() {
  const int slot = SelectedSlot();
  if (slot < 0) return;
  const std::string text = main_frm_->MemoF->Text();
  BusyCursor busy;
  const TCustomCode& scheme = table_.Slot(slot);
  if (scheme.Count <= 0) {
    busy.Restore();
    ShowPlainMessage(this, QString::fromUtf8("Условия не заданы"));
    return;
  }
  main_frm_->MemoF2->SetText(ApplyScheme(scheme, text));
}

void TCustomFrm::ClearBtnClick() {
  table_.ResetWorkRecord();
  CBox->clear();
  RuleStarted = false;
}

void TCustomFrm::ListBox1Click() {
  const int slot = SelectedSlot();
  if (slot < 0) return;
  CBox->clear();
  const TCustomCode& scheme = table_.Slot(slot);
  for (int k = 1; k <= std::min(scheme.Count, kMaxRules); ++k)
    CBox->addItem(RuleLine(FromBytes(scheme.FromName(k)), FromBytes(scheme.ToName(k))));
}

void TCustomFrm::AddToListBtnClick() {
  if (!name_frm_ || !name_frm_->Execute()) return;
  table_.AddScheme(name_frm_->SchemeName());
  ListBox1->addItem(FromBytes(name_frm_->SchemeName()));
  ClearBtnClick();
}

void TCustomFrm::DelFromListBtnClick() {
  const int slot = SelectedSlot();
  if (slot <= 0) {
    ShowPlainMessage(this, QString::fromUtf8("Не выбрана удаляемая схема"));
    return;
  }
  const QString question = QString::fromUtf8("Удалить схему \"") +
                           FromBytes(table_.Slot(slot).Name) + QStringLiteral("\"?");
  // Only a clear Yes deletes; closing the box keeps the scheme.
  if (AskConfirmation(this, question) != ConfirmAnswer::kYes) return;
  const bool was_last = slot == table_.Count();
  // Drop the table's slot before the list entry, so that the selection
  // change the removal causes finds them aligned.
  table_.RemoveSlot(slot);
  {
    const QSignalBlocker quiet(ListBox1);
    delete ListBox1->takeItem(slot);
    // The list would select the next scheme while its rules stay hidden,
    // so that "Выполнить" and another "Удалить" would act on a scheme the
    // user cannot see: nothing is selected after a delete.
    ListBox1->clearSelection();
    ListBox1->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
  }
  if (!was_last) ClearBtnClick();
}

void TCustomFrm::ListBtnClick() { hide(); }

}  // namespace lirvane
