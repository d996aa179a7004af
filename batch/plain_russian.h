// A quick test for Windows-1251 bytes that plainly are correct Russian
// text, so that the common case (a folder of UTF-8 files that are right)
// costs a counting pass instead of the detector's weighing of every chain.
// It says yes only on clear evidence; anything else goes to the detector.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace lirvane {

// At least 30 Cyrillic letters, at least three small letters to a capital,
// hardly a capital inside a word, few Ё, the commonest letters of Russian as
// common and its rarest as rare as in Russian, no more than twice as many
// Latin letters (a Western text's accented letters read as Cyrillic ones),
// and no byte of 0x80-0xBF but the
// punctuation Russian text uses. Each garbling breaks one of these: UTF-8 read as
// Windows-1251 brings a 0x80-0xBF byte after every letter, KOI8-R swaps
// the cases, DOS 866 and ISO-8859-5 bring symbols or capitals, Mac
// Cyrillic's capitals are symbols and its "я" a capital, and a garbling
// twice over that keeps the cases swaps the letters. On held-out text it
// passes 85 % of paragraphs of 30 letters or more and 99 % of texts of
// 300 B to 6 KB (with EveryLinePlain1251 too); of these texts garbled once
// or twice between the five Russian pages it lets through one in a
// thousand, readings as Mac Cyrillic that change a few letters. It is used
// where the detector's own misses are more (Mac readings of right texts).
bool IsPlainRussian1251(std::string_view text);

// The same on how often each byte comes, all but the capitals inside words:
// false when IsPlainRussian1251 is false for every text of these bytes.
bool MayBePlainRussian1251(const std::array<size_t, 256>& byte_counts);

// No line has a byte of 0x80-0xBF but Ё, ё and the punctuation Russian text
// uses, more than two capitals inside words, or mostly capitals (four or
// more) unless it is a heading: a line garbled on its own in a text that
// is right as a whole (UTF-8 read as Windows-1251, or read in another page,
// which in KOI8-R swaps the cases) has one of them. A heading has no small
// letter before a capital and, if longer than forty letters, a small letter
// for every four capitals.
bool EveryLinePlain1251(std::string_view text);

// Both IsPlainRussian1251 and EveryLinePlain1251, in one pass.
bool IsPlainRussian1251ByLine(std::string_view text);

}  // namespace lirvane
