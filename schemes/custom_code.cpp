#include "schemes/custom_code.h"

#include <stdexcept>

namespace lirvane {
namespace {

// Member pointers let one index map serve every field group.
constexpr int32_t TCustomCode::*kFrom[kMaxRules] = {&TCustomCode::From1, &TCustomCode::From2,
                                                    &TCustomCode::From3, &TCustomCode::From4,
                                                    &TCustomCode::From5};
constexpr int32_t TCustomCode::*kTo[kMaxRules] = {
    &TCustomCode::To1, &TCustomCode::To2, &TCustomCode::To3, &TCustomCode::To4, &TCustomCode::To5};
constexpr std::string TCustomCode::*kFromName[kMaxRules] = {
    &TCustomCode::FromName1, &TCustomCode::FromName2, &TCustomCode::FromName3,
    &TCustomCode::FromName4, &TCustomCode::FromName5};
constexpr std::string TCustomCode::*kToName[kMaxRules] = {
    &TCustomCode::ToName1, &TCustomCode::ToName2, &TCustomCode::ToName3, &TCustomCode::ToName4,
    &TCustomCode::ToName5};

int Index(int k) {
  if (k < 1 || k > kMaxRules) throw std::out_of_range("rule number out of range");
  return k - 1;
}

}  // namespace

int32_t& TCustomCode::From(int k) { return this->*kFrom[Index(k)]; }
int32_t& TCustomCode::To(int k) { return this->*kTo[Index(k)]; }
std::string& TCustomCode::FromName(int k) { return this->*kFromName[Index(k)]; }
std::string& TCustomCode::ToName(int k) { return this->*kToName[Index(k)]; }
int32_t TCustomCode::From(int k) const { return this->*kFrom[Index(k)]; }
int32_t TCustomCode::To(int k) const { return this->*kTo[Index(k)]; }
const std::string& TCustomCode::FromName(int k) const { return this->*kFromName[Index(k)]; }
const std::string& TCustomCode::ToName(int k) const { return this->*kToName[Index(k)]; }

TCustomCode NewSchemeRecord(std::string_view name) {
  TCustomCode record;
  record.Name = std::string(name);
  return record;
}

}  // namespace lirvane
