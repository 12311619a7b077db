#include "widgets/VM4_RightEditRules.h"

#include "foundations/VM4_Units.h"

TRightEditRules DecimalRulesForUnit(int unit, bool AllowZero, bool AllowNegative) {
    return DecimalRules(unitDecimals(unit), unitMaxIntegerDigits(unit), AllowZero, AllowNegative);
}

TRightEditRules DecimalRules(int MaxDecimals, int MaxIntegerDigits, bool AllowZero, bool AllowNegative) {
    TRightEditRules rules;
    rules.Filter = TRightEditFilter::Decimal;
    rules.AllowZero = AllowZero;
    rules.AllowNegative = AllowNegative;
    rules.MaxDecimals = MaxDecimals;
    rules.MaxIntegerDigits = MaxIntegerDigits;
    return rules;
}

TRightEditRules IntegerRules(int MaxLength, bool AllowZero, bool AllowNegative) {
    TRightEditRules rules;
    rules.Filter = TRightEditFilter::Integer;
    rules.AllowZero = AllowZero;
    rules.AllowNegative = AllowNegative;
    rules.MaxLength = MaxLength;
    return rules;
}

TRightEditRules CalculatorRules(bool AllowZero, bool AllowNegative) {
    TRightEditRules rules;
    rules.Filter = TRightEditFilter::Calculator;
    rules.AllowZero = AllowZero;
    rules.AllowNegative = AllowNegative;
    return rules;
}
