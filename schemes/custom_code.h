// The recoding scheme record: a name and a chain of up to five rules, each
// carrying a text from one code page into another.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lirvane {

// Rules a scheme can hold; Count may say more, but only five are applied.
inline constexpr int kMaxRules = 5;

// "Новая схема" in Windows-1251: the name of the work record in slot 0.
// Names are Windows-1251 bytes in memory and in the scheme file.
inline constexpr std::string_view kNewSchemeName = "\xCD\xEE\xE2\xE0\xFF \xF1\xF5\xE5\xEC\xE0";

// Field order is the record's declared order; the scheme file uses another
// one (see scheme_file.h). Codes are positive code page codes as chosen in
// the editor; the direction is added when the rule is applied.
struct TCustomCode {
  std::string Name;
  int32_t Count = 0;
  int32_t From1 = 0, To1 = 0;
  int32_t From2 = 0, To2 = 0;
  int32_t From3 = 0, To3 = 0;
  int32_t From4 = 0, To4 = 0;
  int32_t From5 = 0, To5 = 0;
  std::string FromName1, ToName1;
  std::string FromName2, ToName2;
  std::string FromName3, ToName3;
  std::string FromName4, ToName4;
  std::string FromName5, ToName5;

  // Rule k, k from 1 to kMaxRules; other k throw std::out_of_range.
  int32_t& From(int k);
  int32_t& To(int k);
  std::string& FromName(int k);
  std::string& ToName(int k);
  int32_t From(int k) const;
  int32_t To(int k) const;
  const std::string& FromName(int k) const;
  const std::string& ToName(int k) const;

  friend bool operator==(const TCustomCode&, const TCustomCode&) = default;
};

// A new record named `name`: Count 0, all codes 0, all captions empty.
TCustomCode NewSchemeRecord(std::string_view name);

}  // namespace lirvane
