// What the cabinet's tests share: the product's description as the build puts
// it beside the built files, and the cabinet that the build makes from it.
#pragma once

#include <gtest/gtest.h>

#include "cabinet_description.h"
#include "test_support.h"

inline Cabinet ProductDescription()
{
    Cabinet cabinet;
    std::wstring error, path = test_support::BinFolder() + L"\\TavrinFoldKeyboard.inf";
    EXPECT_TRUE(ReadCabinetDescription(path, &cabinet, &error)) << testing::PrintToString(error);
    return cabinet;
}

inline std::wstring ProductCabinetPath()
{
    return test_support::BinFolder() + L"\\..\\cab\\TavrinFoldKeyboard.cab";
}
