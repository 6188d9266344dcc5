#include "export/ReadReportMeasurement.h"

#include "database/AssayQueries.h"
#include "datetime/LocalDateTime.h"

void ReadReportMeasurement(DataBase::SqlConnection& db, AssayId assay, ProtocolReport& report) {
    const int version = DataBase::QuerySchemaVersion(db);
    if (auto header = DataBase::QueryReportHeader(db, assay)) {
        report.measurement = ReportMeasurement{
            .sample = std::move(header->sample),
            .comment = std::move(header->comment),
            .date = FormatLocalDate(header->date),
            .time = FormatLocalTime(header->date, kTimeNoSeconds),
        };
    }
    report.operatorName = DataBase::QueryOperator(db, assay, version);
}
