// Sets the width flags for a scope and puts back the word it replaced.
#pragma once

#include "wcwidthtab.h"

#include <cstdint>

class FlagsSet {
  public:
    explicit FlagsSet(std::int32_t flags) : previous_(KVwchar_set_wcwidth_flags(flags)) {}
    ~FlagsSet() { KVwchar_set_wcwidth_flags(previous_); }
    FlagsSet(const FlagsSet&) = delete;
    FlagsSet& operator=(const FlagsSet&) = delete;

  private:
    std::int32_t previous_;
};
