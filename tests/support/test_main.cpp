// The test programs' entry point: GoogleTest's own, except that every test starts with the program's state as a
// fresh start has it, and that a program that ran tests and skipped every one of them says so in its exit
// code, which CTest and the bundle runners read, rather than passing.
#include <gtest/gtest.h>

#include "app/app_state.h"

// CTest's SKIP_RETURN_CODE for the test programs (tests/CMakeLists.txt).
static const int skippedAsAWhole = 77;

// Before each test's fixture is made, so that no test sees what another left in the one state record.
class FreshAppState : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        ResetAppState();
    }
};

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshAppState);  // GoogleTest owns it
    const int result = RUN_ALL_TESTS();
    const ::testing::UnitTest* unit = ::testing::UnitTest::GetInstance();
    if (result == 0 && unit->successful_test_count() == 0 && unit->skipped_test_count() > 0) {
        return skippedAsAWhole;
    }
    return result;
}
