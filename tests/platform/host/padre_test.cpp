// Padre's close. Its members read by name are guarded through the form's Transaccion
// (component_test).
#include "platform/core/error.h"
#include "platform/host/padre.h"

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

// Guards against the host window being announced closed twice (a host would tear down twice).
TEST(PadreTest, CloseIsAnnouncedOnce)
{
    host::Padre padre;
    int announced = 0;
    QObject::connect(&padre, &host::Padre::closed, [&] { ++announced; });
    padre.close();
    padre.close();
    EXPECT_TRUE(padre.isClosed());
    EXPECT_EQ(announced, 1);
}

} // namespace
