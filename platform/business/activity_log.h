#pragma once
// What the business objects handed to the outside world during a session — documents
// printed and records sent to the record query — kept in order so that the host can
// list them (the scenario runner's "printed" and "queried").
#include "platform/business/table_rows.h"

#include <QString>
#include <functional>
#include <vector>

namespace qmx44::business {

struct PrintedDocument {
    QString format; // the print format's name
    QString folio;
    QString file; // the file written; empty while nothing is written
    // The page the file was drawn from (print::drawPages draws it again on a printer or
    // a preview) and the watermark across it ("CANCELADA"); empty when not printed here.
    QString html;
    QString title;
    QString watermark;
};

struct ConsultedRecord {
    QString table;
    QString column;
    QString value;
    int rows = 0; // how many rows the query found
};

class ActivityLog {
public:
    // The host's hooks, called after a document was recorded: the GUI previews or prints
    // the written file and shows the queried rows in a read-only window. Unset (headless
    // runs), the record is all there is.
    std::function<void(const PrintedDocument &)> onPrint;
    std::function<void(const TableRows &)> onQuery;

    void recordPrint(PrintedDocument d) { m_printedDocuments.push_back(std::move(d)); }
    void recordQuery(ConsultedRecord r) { m_consultedRecords.push_back(std::move(r)); }
    const std::vector<PrintedDocument> &printedDocuments() const { return m_printedDocuments; }
    const std::vector<ConsultedRecord> &consultedRecords() const { return m_consultedRecords; }
    void clear()
    {
        m_printedDocuments.clear();
        m_consultedRecords.clear();
    }

private:
    std::vector<PrintedDocument> m_printedDocuments;
    std::vector<ConsultedRecord> m_consultedRecords;
};

} // namespace qmx44::business
