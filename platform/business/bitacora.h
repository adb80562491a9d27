#pragma once
// What the business objects handed to the outside world during a session — documents
// printed and records sent to the record query — kept in order so that the host can
// list them (the scenario runner's "printed" and "queried").
#include "platform/business/registros_tabla.h"

#include <QString>
#include <functional>
#include <vector>

namespace qmx44::business {

struct DocumentoImpreso {
    QString formato;   // the print format's name
    QString folio;
    QString archivo;   // the file written; empty while nothing is written
};

struct RegistroConsultado {
    QString tabla;
    QString columna;
    QString valor;
    int filas = 0;     // how many rows the query found
};

class Bitacora {
public:
    // The host's hooks, called after a document was recorded: the GUI previews or prints
    // the written file and shows the queried rows in a read-only window. Unset (headless
    // runs), the record is all there is.
    std::function<void(const DocumentoImpreso &)> alImprimir;
    std::function<void(const RegistrosTabla &)> alConsultar;

    void registrarImpresion(DocumentoImpreso d) { m_impresos.push_back(std::move(d)); }
    void registrarConsulta(RegistroConsultado r) { m_consultados.push_back(std::move(r)); }
    const std::vector<DocumentoImpreso> &impresos() const { return m_impresos; }
    const std::vector<RegistroConsultado> &consultados() const { return m_consultados; }
    void clear()
    {
        m_impresos.clear();
        m_consultados.clear();
    }

private:
    std::vector<DocumentoImpreso> m_impresos;
    std::vector<RegistroConsultado> m_consultados;
};

} // namespace qmx44::business
