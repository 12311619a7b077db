#pragma once

// The decimal mark of the user's locale. Numbers are shown with it and typed
// with either mark; it is a setting (not read from the C locale) so that the
// application can take it from the desktop and tests can run with both marks.
char SystemDecimalMark();
void SetSystemDecimalMark(char mark);

// Sets the mark for the lifetime of a scope, then restores the previous one.
class TScopedDecimalMark {
public:
    explicit TScopedDecimalMark(char mark) : previous_(SystemDecimalMark()) { SetSystemDecimalMark(mark); }
    ~TScopedDecimalMark() { SetSystemDecimalMark(previous_); }
    TScopedDecimalMark(const TScopedDecimalMark&) = delete;
    TScopedDecimalMark& operator=(const TScopedDecimalMark&) = delete;

private:
    char previous_;
};
