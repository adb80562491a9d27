#pragma once
// A session on a fresh demo database, with a recording message sink, for service tests.
#include "platform/core/message.h"
#include "platform/services/session.h"
#include "tests/support/test_db.h"

#include <memory>

namespace qmx44::test {

struct SesionDemo {
    explicit SesionDemo(const std::string &backend, const QString &usuario = QStringLiteral("ADMIN"))
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

} // namespace qmx44::test
