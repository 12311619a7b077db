#include "foundations/VM4_DecimalMark.h"

namespace {
char currentMark = '.';
}

char SystemDecimalMark() { return currentMark; }

void SetSystemDecimalMark(char mark) { currentMark = mark; }
