// The schemes held in memory: slot 0 is the work record being assembled in
// the editor, slots 1..Count() the saved schemes in file and list order.
// The table grows as schemes are saved; the scheme file has no limit either.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "schemes/custom_code.h"

namespace lirvane {

class SchemeTable {
 public:
  SchemeTable();  // just a fresh work record, no saved schemes

  // Number of saved schemes; valid slots are 0..Count().
  int Count() const { return static_cast<int>(slots_.size()) - 1; }

  // Slot i, 0 <= i <= Count(); other i throw std::out_of_range.
  TCustomCode& Slot(int i);
  const TCustomCode& Slot(int i) const;
  TCustomCode& WorkRecord() { return slots_.front(); }
  const TCustomCode& WorkRecord() const { return slots_.front(); }

  // Puts a new record named "Новая схема" with no rules into slot 0.
  void ResetWorkRecord();

  // Saves a copy of the work record's rules under `name` as the last scheme;
  // returns its slot.
  int AddScheme(std::string_view name);

  // Appends a record as it is (used by the loader); returns its slot.
  int AppendScheme(TCustomCode record);

  // Removes saved scheme i (1 <= i <= Count()), moving later ones down.
  void RemoveSlot(int i);

  // Drops every saved scheme; the work record stays.
  void ClearSchemes();

  // Set when the scheme file could not be read to its end, so that the next
  // save keeps the old file as a backup instead of silently losing what the
  // table lacks (see SaveSchemes).
  bool LoadIncomplete() const { return load_incomplete_; }
  void SetLoadIncomplete(bool incomplete) { load_incomplete_ = incomplete; }

 private:
  std::vector<TCustomCode> slots_;
  bool load_incomplete_ = false;
};

}  // namespace lirvane
