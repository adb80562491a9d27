#pragma once
// A session on a fresh demo database, with a recording message sink, for service tests.
#include "platform/core/error.h"
#include "platform/core/message.h"
#include "platform/services/session.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace qmx44::test {

struct DemoSession {
    explicit DemoSession(const std::string &backend, const QString &usuario = QStringLiteral("ADMIN"))
        : fresh(backend, /*demo=*/true)
    {
        // The fresh database owns the connection; the session only borrows it.
        conexion = std::shared_ptr<db::Conexion>(&fresh.connection(), [](db::Conexion *) {});
        session = std::make_shared<services::Session>(conexion, usuario);
        sink = std::make_shared<RecordingMessageSink>();
        session->setMessageSink(sink);
    }

    db::Conexion &db() { return *conexion; }

    FreshDatabase fresh;
    std::shared_ptr<db::Conexion> conexion;
    std::shared_ptr<services::Session> session;
    std::shared_ptr<RecordingMessageSink> sink;
};

using NamedOperations = std::vector<std::pair<QString, std::function<void()>>>;

// Arms a planned failure of each operation in turn: the call must fail with the armed
// text, once, and the next call succeed.
inline void expectEachHonoursOnePlannedFailure(services::Session &session, const NamedOperations &operations)
{
    for (const auto &[name, call] : operations) {
        session.faults().arm(name, QStringLiteral("falla planeada de ") + name);
        try {
            call();
            ADD_FAILURE() << name.toStdString() << " did not fail";
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.description(), QStringLiteral("falla planeada de ") + name);
        }
        EXPECT_NO_THROW(call()) << name.toStdString();
    }
    EXPECT_TRUE(session.faults().empty());
}

} // namespace qmx44::test
