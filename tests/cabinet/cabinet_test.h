// The product's description beside the built files, and the cabinet made from it.
#pragma once

#include <gtest/gtest.h>

#include "package_description.h"
#include "test_support.h"

inline Package ProductDescription()
{
    Package package;
    std::wstring error, path = test_support::BinFolder() + L"\\TavrinFoldKeyboard.inf";
    EXPECT_TRUE(ReadPackageDescription(path, &package, &error)) << testing::PrintToString(error);
    return package;
}
const std::wstring kProductCabinet =
    test_support::BinFolder() + L"\\..\\cab\\TavrinFoldKeyboard.cab";
