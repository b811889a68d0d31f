// The sign library on an empty temporary program folder, for the tests of sign files,
// the library and text styles: each test writes the files it needs below Dir.
#pragma once

#include "foundation/AppGlobalVar.h"
#include "semantics/signs/Symbols.h"
#include "support/TestHelpers.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class SignFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Dir.isValid()); }

    QTemporaryDir Dir;
    TProgramFolderScope Program{Dir.path()};
    TSymbols Symbols;
};
