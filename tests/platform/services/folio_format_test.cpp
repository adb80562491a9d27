// Folio normalisation: the form documents are keyed by, from what a user typed.
#include "platform/services/folio_format.h"

#include <gtest/gtest.h>

using qmx44::services::normaliseFolio;

namespace {

struct FolioCase {
    const char *tecleado;
    int ancho;
    const char *esperado;
};

class FolioFormatTest : public ::testing::TestWithParam<FolioCase> {};

// Guards against lookups that miss stored documents because the typed folio was not
// brought to the stored form (or was mangled while doing so).
TEST_P(FolioFormatTest, NormalisesToTheStoredForm)
{
    const FolioCase &c = GetParam();
    EXPECT_EQ(normaliseFolio(QString::fromUtf8(c.tecleado), c.ancho).toStdString(), std::string(c.esperado));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FolioFormatTest,
    ::testing::Values(FolioCase{"1", 10, "0000000001"}, FolioCase{"  42  ", 10, "0000000042"}, // trimmed before padding
                      FolioCase{"123456789012", 10, "123456789012"},         // longer than the width: never cut
                      FolioCase{"123", 6, "000123"},                         // the document's own width
                      FolioCase{"c1", 10, "C000000001"},                     // letters kept in front, upper-cased
                      FolioCase{"ñ7", 5, "Ñ0007"},                           // non-ASCII letters upper-case too
                      FolioCase{"CX123456789", 10, "CX123456789"},           // longer with letters: unchanged
                      FolioCase{"   ", 10, ""}, FolioCase{"abc", 10, "ABC"}, // letters only: no digits to pad
                      FolioCase{"12ab", 10, "12AB"},                         // digits then letters: unchanged
                      FolioCase{"1 2", 10, "1 2"},                           // a blank inside: unchanged
                      FolioCase{"-5", 10, "-5"},                             // a sign: not a folio of digits
                      FolioCase{"x'1", 10, "X'1"},                           // a quote is kept, never padded into
                      FolioCase{"7", -3, "0000000007"}                       // a nonsense width means the default
                      ));

} // namespace
