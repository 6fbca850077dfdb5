// The full-width forms of the calculator's characters, as an IME in
// full-width mode types them, turned into their ASCII forms.
#ifndef QUELT_LAUNCHER_FULL_WIDTH_ARITHMETIC_H
#define QUELT_LAUNCHER_FULL_WIDTH_ARITHMETIC_H

// Rewrites text in place: "＝", "０" to "９", "＋－＊／＾％．" and "（）" become
// "=", "0" to "9", "+-*/^%." and "()". Whole characters only: a second byte
// that looks like one of those is never touched. The text only gets shorter.
void NarrowFullWidthArithmetic(char* text);

#endif
