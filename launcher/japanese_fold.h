// Japanese text made comparable for the search by a part of a name: kana of
// either script and width as one hiragana, full-width letters as ASCII, and
// typed ASCII read as romaji.
#ifndef QUELT_LAUNCHER_JAPANESE_FOLD_H
#define QUELT_LAUNCHER_JAPANESE_FOLD_H

// Folds text (CP932) for matching:
// - full-width katakana become hiragana (メモ -> めも); ヴ becomes う゛, as the
//   code page has no hiragana ゔ; ヵ and ヶ stay, for the same reason;
// - half-width katakana 0xA6 to 0xDF become full-width hiragana, a following
//   half-width voiced (ﾞ) or semi-voiced (ﾟ) mark joined where the kana takes
//   it (ｶﾞ -> が, ﾊﾟ -> ぱ); elsewhere the mark becomes ゛ or ゜ (ｳﾞ -> う゛,
//   the same as ヴ); ｰ becomes ー; ｡｢｣､･ stay;
// - full-width ASCII (！ to ～, ＂ and ＇ at both of their codes) becomes
//   ASCII and the ideographic space a blank;
// - A to Z, single-byte or full-width, become a to z.
// Everything else stays as it is: ー, hiragana, kanji, symbols. A double-byte
// character is read whole, so a trail byte is never folded on its own; a lead
// byte at the very end is kept as a single byte.
// Writes the folded text, zero-terminated, into out (room bytes) and returns
// its length; a character that does not fit is left out with all after it.
// The result is never longer than twice the text.
int FoldForMatch(const char* text, char* out, const int& room);

// Reads ASCII text as romaji, the way the IMEs take it, letter case ignored,
// and writes the hiragana it spells (CP932, zero-terminated) into out.
// False when a letter or sign is not romaji, for any byte from 0x80 up, when
// nothing is spelled, or when out has no room.
// Accepted spellings:
// - a i u e o, the k g s z t d n h b p m y r w rows, wo (を);
// - Hepburn and kunrei alike: shi/si, chi/ti, tsu/tu, fu/hu, ji/zi, di (ぢ),
//   du (づ);
// - y-combinations (ゃゅょ) of k g n h b p m r: kya kyu kyo and so on; sha/sya,
//   shu/syu, sho/syo; ja/zya/jya, ju/zyu/jyu, jo/zyo/jyo; cha/tya/cya,
//   chu/tyu/cyu, cho/tyo/cyo; dya dyu dyo (ぢゃ);
// - she je che, fa fi fe fo, wi we, thi (てぃ) dhi (でぃ), va vi vu ve vo
//   (vu -> う゛, like ヴ after FoldForMatch);
// - small kana with x or l: xa xi xu xe xo, xya xyu xyo, xtu xtsu, xwa;
// - ん: "nn" always (so "onna" is おんあ and おんな is "onnna" or "on'na"), "n'",
//   and "n" before a consonant other than y or at the end;
// - っ: a consonant other than n doubled ("kitte" -> きって), and "tch"
//   ("matcha" -> まっちゃ);
// - "-" -> ー; long vowels as typed ("kyou" -> きょう).
// An unfinished syllable at the end (the beginning of one above, such as the
// "k" or "ky" of a name being typed) is allowed and spells nothing.
bool RomajiToKana(const char* text, char* out, const int& room);

#endif
