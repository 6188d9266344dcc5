#include "ui/DatabaseFailure.h"

#include <sqlite3.h>

std::u16string_view DatabaseFailureExplanation(int code) noexcept {
    switch (code & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return u"База данных занята другой программой. Повторите попытку позже.";
        case SQLITE_CANTOPEN:
            return u"Файл базы данных не найден или недоступен. Проверьте, что он на месте "
                   u"и сетевой диск подключён, и повторите попытку.";
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            return u"Файл базы данных повреждён или не является базой данных. Обратитесь к "
                   u"администратору.";
        // A reading connection meets it when the database needs a write to be finished or
        // undone first, which only the host may do.
        case SQLITE_READONLY:
            return u"База данных ждёт завершения прерванной записи. Откройте её в основной "
                   u"программе и повторите попытку.";
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return u"Нет прав на чтение базы данных. Обратитесь к администратору.";
        case SQLITE_IOERR:
            return u"Ошибка чтения с диска. Проверьте диск или сетевое подключение и повторите "
                   u"попытку.";
        case SQLITE_FULL:
            return u"Диск заполнен. Освободите место на диске и повторите попытку.";
        case SQLITE_NOMEM:
            return u"Недостаточно памяти. Закройте другие программы и повторите попытку.";
        default:
            return u"Ошибка базы данных.";
    }
}
