#pragma once

// What a numeric entry box admits and how its text is read back. The key
// filter and the parse share the sign rule, so that a box never accepts a key
// that leads to a value its reader refuses for being negative.
enum class TRightEditFilter { Decimal, Integer, Calculator };

struct TRightEditRules {
    TRightEditFilter Filter = TRightEditFilter::Decimal;
    bool AllowNegative = false;
    bool AllowZero = true;
    int MaxDecimals = 3;        // decimal boxes: digits after the mark
    int MaxIntegerDigits = 6;   // decimal boxes: characters before the mark, sign included
    int MaxLength = 9;          // integer boxes: characters in all
};

// A decimal box typed in `unit` of the unit table: its decimal places and its
// digits before the mark are the box's limits.
TRightEditRules DecimalRulesForUnit(int unit, bool AllowZero, bool AllowNegative);

// A decimal box with limits of its own (for values that have no unit, or
// limits fixed by their dialog).
TRightEditRules DecimalRules(int MaxDecimals, int MaxIntegerDigits, bool AllowZero, bool AllowNegative);

// A whole-number box of at most MaxLength characters.
TRightEditRules IntegerRules(int MaxLength, bool AllowZero, bool AllowNegative);

// The K-value calculators' boxes: digits, one mark and one sign, no limits.
TRightEditRules CalculatorRules(bool AllowZero, bool AllowNegative);
