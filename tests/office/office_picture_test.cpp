// The exports as LibreOffice draws them, against the program's own picture of
// the same drawing; skipped where LibreOffice is not installed.
#include <gtest/gtest.h>

#include "picture_match.h"
#include "sample_document.h"

namespace pelmar::test {
namespace {

TEST(OfficePictures, EveryKind) {
    auto doc = SampleDocument();
    ExportOptions options;
    options.WordArrowNo = 2;
    options.WordDashNo = 4;
    MatchWithLibreOffice(*doc, "sample", options, 0.85);
}

}  // namespace
}  // namespace pelmar::test
