// Recoding, swap, remember and reload, the clipboard and the text services.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "platform/busy_cursor.h"
#include "platform/dialogs.h"
#include "platform/text_pane.h"
#include "recode/codepage.h"
#include "recode/recode.h"
#include "recode/transforms.h"
#include "ui/main_frm.h"

namespace lirvane {

void TMainFrm::ApplyRecodings(int32_t a, int32_t b, int32_t c) {
  BusyCursor busy;
  std::string text = MemoF->Text();
  // 0 means no step.
  for (int32_t code : {a, b, c})
    if (code != 0) RecodeInPlace(text, code);
  MemoF2->SetText(text);
}

void TMainFrm::KoiWin1Click() { ApplyRecodings(8, 0, 0); }
void TMainFrm::WinKoi1Click() { ApplyRecodings(-8, 0, 0); }
void TMainFrm::AltWin1Click() { ApplyRecodings(866, 0, 0); }
void TMainFrm::WinAlt1Click() { ApplyRecodings(-866, 0, 0); }
void TMainFrm::KoiKoiWin1Click() { ApplyRecodings(-8, -8, 0); }
void TMainFrm::IsoWin1Click() { ApplyRecodings(595, 0, 0); }
void TMainFrm::MacWin1Click() { ApplyRecodings(111, 0, 0); }

void TMainFrm::UtfWin1Click() { ApplyRecodings(kCodeUtf8, 0, 0); }
void TMainFrm::WinUtf1Click() { ApplyRecodings(-kCodeUtf8, 0, 0); }

void TMainFrm::UniWin1Click() { MemoF2->SetText(UnescapeFormUrlencoded(MemoF->Text())); }

void TMainFrm::OverCodClick() {
  if (open_scheme_editor_) open_scheme_editor_();
}

void TMainFrm::ChangeSMClick() {
  // MemoT keeps the former result; the visible texts trade places.
  MemoT->CopyContentsFrom(*MemoF2);
  MemoF->SwapContents(*MemoF2);
}

void TMainFrm::ToMemClick() { MemoBk->CopyContentsFrom(*MemoF); }

void TMainFrm::ReloadSMClick() { MemoF->CopyContentsFrom(*MemoBk); }

void TMainFrm::CopySMClick() {
  if (TextPane* pane = FocusedPane()) pane->CopySelectionToClipboard();
}

void TMainFrm::CutSMClick() {
  if (TextPane* pane = FocusedPane()) pane->CutSelectionToClipboard();
}

void TMainFrm::InsSMClick() {
  TextPane* pane = FocusedPane();
  if (!pane) return;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) {
    ShowPlainMessage(this, QString::fromUtf8("В буфере обмена отсутствует текст!"));
    return;
  }
  // Every character as it came, those Windows-1251 lacks too.
  pane->ReplaceSelectionCharacters(data->text());
}

void TMainFrm::DelSMClick() {
  if (TextPane* pane = FocusedPane()) pane->Clear();
}

void TMainFrm::SelAllSMClick() {
  if (TextPane* pane = FocusedPane()) pane->SelectAllText();
}

void TMainFrm::ApplyTextService(std::string (*transform)(std::string_view)) {
  BusyCursor busy;
  TextPane* pane = FocusedPane();
  if (!pane) return;
  const std::string selected = pane->SelectedText();
  if (selected.empty()) {
    busy.Restore();
    ShowPlainMessage(this, QString::fromUtf8("Выделите текст для применения"));
    return;
  }
  pane->ReplaceSelection(transform(selected));
}

void TMainFrm::ToUpClick() { ApplyTextService(UpperCaseText); }
void TMainFrm::ToLoClick() { ApplyTextService(LowerCaseText); }
void TMainFrm::LatRus1Click() { ApplyTextService(LatToCyr); }
void TMainFrm::RusLat1Click() { ApplyTextService(CyrToLat); }
void TMainFrm::DelSpaseClick() { ApplyTextService(CollapseSpaces); }
void TMainFrm::DelTagsClick() { ApplyTextService(DeleteTags); }

}  // namespace lirvane
