// The settings kept between runs under "\SOFTWARE\Velkor\Lirvane\Program":
// read once at start-up into the windows and options, written once at
// shutdown from them.
#pragma once

namespace lirvane {

class StoreAccessor;
class TCustomFrm;
class TMainFrm;

// What the start-up needs to know after the settings load.
struct SettingsLoadResult {
  bool first_run = false;  // no "Program" key: nothing was loaded
  bool completed = false;  // every step ran, so the command line may be acted on
  bool maximized = false;  // "WS" asked for a maximized window
  bool tray_icon = false;  // the notification icon option as stored
};

// The layout group, the recent files and the fonts, in their order. The
// autorun mark and the notification icon are the caller's (they are the
// desktop integration's): `between_layout_and_buttons` runs after the
// layout group, before the button view is applied.
template <typename F>
SettingsLoadResult LoadSettings(TMainFrm& main_frm, TCustomFrm& custom_frm, StoreAccessor& store,
                                F&& between_layout_and_buttons);

// Shutdown: the settings when "Сохранять настройки" is ticked, then
// "SaveOpt" and the recent files always. A value that cannot be written is
// reported once; the rest are still written.
void SaveSettings(TMainFrm& main_frm, TCustomFrm& custom_frm, StoreAccessor& store);

// The parts of LoadSettings; public for the template above.
namespace settings_detail {
bool OpenProgramKey(StoreAccessor& store);
void LoadLayoutGroup(TMainFrm& main_frm, TCustomFrm& custom_frm, StoreAccessor& store,
                     SettingsLoadResult& result);
// "Utf8Files" stands outside the layout group: a store written before the
// option existed lacks it and still loads the whole group.
void LoadUtf8Files(TMainFrm& main_frm, StoreAccessor& store);
void LoadRecentFiles(TMainFrm& main_frm, StoreAccessor& store);
void LoadFonts(TMainFrm& main_frm, StoreAccessor& store);
void ApplyButtonView(TMainFrm& main_frm);
}  // namespace settings_detail

template <typename F>
SettingsLoadResult LoadSettings(TMainFrm& main_frm, TCustomFrm& custom_frm, StoreAccessor& store,
                                F&& between_layout_and_buttons) {
  using namespace settings_detail;
  SettingsLoadResult result;
  if (!OpenProgramKey(store)) {
    result.first_run = true;
    ApplyButtonView(main_frm);
    return result;
  }
  LoadLayoutGroup(main_frm, custom_frm, store, result);
  LoadUtf8Files(main_frm, store);
  between_layout_and_buttons(result);
  ApplyButtonView(main_frm);
  LoadRecentFiles(main_frm, store);
  LoadFonts(main_frm, store);  // unguarded: a failure ends the load here
  result.completed = true;
  return result;
}

}  // namespace lirvane
