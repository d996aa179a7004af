#include "schemes/scheme_table.h"

#include <stdexcept>
#include <utility>

namespace lirvane {

SchemeTable::SchemeTable() { slots_.push_back(NewSchemeRecord(kNewSchemeName)); }

TCustomCode& SchemeTable::Slot(int i) {
  return slots_.at(static_cast<size_t>(i < 0 ? slots_.size() : i));
}

const TCustomCode& SchemeTable::Slot(int i) const {
  return slots_.at(static_cast<size_t>(i < 0 ? slots_.size() : i));
}

void SchemeTable::ResetWorkRecord() { slots_.front() = NewSchemeRecord(kNewSchemeName); }

int SchemeTable::AddScheme(std::string_view name) {
  TCustomCode record = slots_.front();
  record.Name = std::string(name);
  return AppendScheme(std::move(record));
}

int SchemeTable::AppendScheme(TCustomCode record) {
  slots_.push_back(std::move(record));
  return Count();
}

void SchemeTable::RemoveSlot(int i) {
  if (i < 1 || i > Count()) throw std::out_of_range("no saved scheme in slot");
  slots_.erase(slots_.begin() + i);
}

void SchemeTable::ClearSchemes() { slots_.resize(1); }

}  // namespace lirvane
