#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "database/unicode/WideVectors.h"

// The widths in bytes of the block routines that this build runs on this processor: the
// thirty-two-byte ones where they are built and the processor has AVX2, and the sixteen-byte
// ones of the Windows DLL everywhere.
inline std::vector<int> BlockWidths() {
#ifdef NIVRA_WIDE_VECTORS
    if (DataBase::Unicode::ProcessorHasWideVectors()) return {32, 16};
#endif
    return {16};
}

// A test run once for each width: the mappings and searches it prepares take the block
// routines of that width, at every length of text.
class EachBlockWidth : public testing::TestWithParam<int> {
protected:
    void SetUp() override { Allow(GetParam() == 32); }
    void TearDown() override { Allow(true); }

private:
    static void Allow([[maybe_unused]] bool wide) {
#ifdef NIVRA_WIDE_VECTORS
        DataBase::Unicode::UseWideVectors(wide);
#endif
    }
};

// Instantiates the tests of `suite`, a class derived from EachBlockWidth, for each width.
#define NIVRA_FOR_EACH_BLOCK_WIDTH(suite)                                          \
    INSTANTIATE_TEST_SUITE_P(BlockWidths, suite, testing::ValuesIn(BlockWidths()), \
                             testing::PrintToStringParamName())
