#pragma once

#include "ChoiceLists.h"
#include "values/ValueDisplay.h"

#include <cstdint>
#include <span>

namespace lumetra {

// How a value display is kept in a settings file.
enum class ValueForm {
    V6, // the six digit cells
    V7, // six digit cells and the extra cell, in screen order
    P6, // prescale: digit cells 1, 2, the point, cells 3, 4, 5
};

// A list selection of a settings record: its control name, where the file
// keeps it (offset and character class 'D' or 'H'), its label for reports,
// and the panel (block) it belongs to.
template <class Record>
struct ListField {
    const char* name;
    std::uint8_t Record::*member;
    int offset;
    char fileClass;
    Text labelId;
    int block;
};

// A value display of a settings record, described the same way.
template <class Record>
struct ValueField {
    const char* name;
    ValueDisplay Record::*member;
    int offset;
    ValueForm form;
    Text labelId;
    int block;
    int decimalClass; // CheckRange class; -1 when it follows the record's state
    int point;        // decimal point position of the extra cell; -1 when it follows the record's state
};

} // namespace lumetra
