#include "tests/support/gui_application.h"

namespace {
::testing::Environment *const kAplicacionGrafica =
    ::testing::AddGlobalTestEnvironment(new qmx44::test::AplicacionGrafica);
}
