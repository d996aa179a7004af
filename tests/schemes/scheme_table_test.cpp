#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>

#include "recode/recode.h"
#include "schemes/apply_scheme.h"
#include "schemes/scheme_table.h"
#include "tests/schemes/test_support.h"

namespace lirvane {
namespace {

TCustomCode Rule(int32_t from, int32_t to) {
  TCustomCode record = NewSchemeRecord("r");
  record.Count = 1;
  record.From1 = from;
  record.To1 = to;
  return record;
}

TEST(SchemeTableTest, StartsWithWorkRecordOnly) {
  SchemeTable table;
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(table.Slot(0).Name, "\xCD\xEE\xE2\xE0\xFF \xF1\xF5\xE5\xEC\xE0");
  EXPECT_EQ(table.Slot(0), NewSchemeRecord(kNewSchemeName));
  EXPECT_THROW(table.Slot(1), std::out_of_range);
  EXPECT_THROW(table.Slot(-1), std::out_of_range);
}

TEST(SchemeTableTest, AddSchemeCopiesWorkRecordUnderNewName) {
  SchemeTable table;
  table.WorkRecord().Count = 2;
  table.WorkRecord().From(2) = 8;
  table.WorkRecord().ToName(2) = "Win-1251";
  EXPECT_EQ(table.AddScheme("mine"), 1);

  EXPECT_EQ(table.Slot(1).Name, "mine");
  EXPECT_EQ(table.Slot(1).Count, 2);
  EXPECT_EQ(table.Slot(1).From2, 8);
  EXPECT_EQ(table.Slot(1).ToName2, "Win-1251");
  // The saved copy is its own record: changing the work record leaves it.
  table.WorkRecord().From(2) = 866;
  EXPECT_EQ(table.Slot(1).From2, 8);
  EXPECT_EQ(table.WorkRecord().Name, kNewSchemeName);

  table.ResetWorkRecord();
  EXPECT_EQ(table.WorkRecord(), NewSchemeRecord(kNewSchemeName));
  EXPECT_EQ(table.Slot(1).From2, 8);
}

TEST(SchemeTableTest, GrowsPastFifteenAndRemovesKeepingOrder) {
  SchemeTable table;
  for (int i = 1; i <= 20; ++i) EXPECT_EQ(table.AddScheme(std::to_string(i)), i);
  EXPECT_EQ(table.Count(), 20);

  table.RemoveSlot(3);
  EXPECT_EQ(table.Count(), 19);
  EXPECT_EQ(table.Slot(2).Name, "2");
  EXPECT_EQ(table.Slot(3).Name, "4");
  table.RemoveSlot(19);  // the last one
  EXPECT_EQ(table.Slot(18).Name, "19");
  EXPECT_THROW(table.RemoveSlot(0), std::out_of_range);  // never the work record
  EXPECT_THROW(table.RemoveSlot(19), std::out_of_range);
}

TEST(SchemeRecordTest, RuleAccessorsReachTheNamedFields) {
  TCustomCode record;
  for (int k = 1; k <= kMaxRules; ++k) {
    record.From(k) = 10 * k;
    record.To(k) = 10 * k + 1;
    record.FromName(k) = "f" + std::to_string(k);
    record.ToName(k) = "t" + std::to_string(k);
  }
  EXPECT_EQ(record.From1, 10);
  EXPECT_EQ(record.To3, 31);
  EXPECT_EQ(record.From5, 50);
  EXPECT_EQ(record.FromName4, "f4");
  EXPECT_EQ(record.ToName5, "t5");
  EXPECT_THROW(record.From(0), std::out_of_range);
  EXPECT_THROW(record.ToName(6), std::out_of_range);
}

TEST(ApplySchemeTest, EachRuleGoesIntoWin1251AndOutAgain) {
  const std::string bytes = testing::AllBytes();
  // KOI8-R to Alt-866 is KOI8-R into Windows-1251, then Windows-1251 into 866.
  EXPECT_EQ(ApplyScheme(Rule(8, 866), bytes), Recode(Recode(bytes, 8), -866));
  // Win-1251 on one side is a copying step.
  EXPECT_EQ(ApplyScheme(Rule(1251, 8), bytes), Recode(bytes, -8));
  EXPECT_EQ(ApplyScheme(Rule(8, 1251), bytes), Recode(bytes, 8));
  // Codes the editor never writes are applied as they stand.
  EXPECT_EQ(ApplyScheme(Rule(-8, 1251), bytes), Recode(bytes, -8));
  EXPECT_EQ(ApplyScheme(Rule(8, 8), bytes), Recode(Recode(bytes, 8), -8));
  EXPECT_EQ(ApplyScheme(Rule(7, 12345), bytes), bytes);
  EXPECT_EQ(ApplyScheme(Rule(INT32_MIN, INT32_MIN), bytes), bytes);
}

TEST(ApplySchemeTest, CountDecidesHowManyRulesRun) {
  TCustomCode record;
  for (int k = 1; k <= kMaxRules; ++k) {
    record.From(k) = 1251;
    record.To(k) = 8;  // each rule recodes once more into KOI8-R
  }
  std::string expected = "\xE0";
  const auto after = [&](int rules) {
    std::string text = "\xE0";
    for (int k = 0; k < rules; ++k) text = Recode(text, -8);
    return text;
  };
  record.Count = 3;
  EXPECT_EQ(ApplyScheme(record, "\xE0"), after(3));
  record.Count = 9;  // above five: all five rules, no more
  EXPECT_EQ(ApplyScheme(record, "\xE0"), after(5));
  record.Count = 0;
  EXPECT_EQ(ApplyScheme(record, "\xE0"), expected);
  record.Count = -4;
  EXPECT_EQ(ApplyScheme(record, "\xE0"), expected);
  EXPECT_EQ(ApplyScheme(record, ""), "");
}

}  // namespace
}  // namespace lirvane
