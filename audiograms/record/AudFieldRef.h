#pragma once
// A named field of an audiogram record, so the long column and parameter lists are
// tables rather than code.

#include "audiograms/record/CAudRecord.h"

#include <variant>

struct AudFieldRef {
    using TextRef = QString* (*)(CAudRecord&);
    using IntRef = int* (*)(CAudRecord&);
    using RealRef = float* (*)(CAudRecord&);

    const char* name;
    std::variant<TextRef, IntRef, RealRef> field;
};

#define AUD_TEXT(name, member) AudFieldRef{name, AudFieldRef::TextRef([](CAudRecord& r) { return &r.member; })}
#define AUD_INT(name, member) AudFieldRef{name, AudFieldRef::IntRef([](CAudRecord& r) { return &r.member; })}
#define AUD_REAL(name, member) AudFieldRef{name, AudFieldRef::RealRef([](CAudRecord& r) { return &r.member; })}
