#include "ui/DatabaseFailure.h"

namespace {

// The engine's primary result codes that a reading connection can meet.
enum PrimaryCode {
    kPermission = 3,
    kBusy = 5,
    kLocked = 6,
    kNoMemory = 7,
    kReadOnly = 8,
    kIoError = 10,
    kCorrupt = 11,
    kFull = 13,
    kCannotOpen = 14,
    kAuthorization = 23,
    kNotADatabase = 26,
};

}  // namespace

std::u16string_view DatabaseFailureExplanation(int code) noexcept {
    switch (code & 0xFF) {
        case kBusy:
        case kLocked:
            return u"База данных занята другой программой. Повторите попытку позже.";
        case kCannotOpen:
            return u"Файл базы данных не найден или недоступен. Проверьте, что он на месте "
                   u"и сетевой диск подключён, и повторите попытку.";
        case kNotADatabase:
        case kCorrupt:
            return u"Файл базы данных повреждён или не является базой данных. Обратитесь к "
                   u"администратору.";
        // A reading connection meets it when the database needs a write to be finished or
        // undone first, which only the host may do.
        case kReadOnly:
            return u"База данных ждёт завершения прерванной записи. Откройте её в основной "
                   u"программе и повторите попытку.";
        case kPermission:
        case kAuthorization:
            return u"Нет прав на чтение базы данных. Обратитесь к администратору.";
        case kIoError:
            return u"Ошибка чтения с диска. Проверьте диск или сетевое подключение и повторите "
                   u"попытку.";
        case kFull:
            return u"Диск заполнен. Освободите место на диске и повторите попытку.";
        case kNoMemory:
            return u"Недостаточно памяти. Закройте другие программы и повторите попытку.";
        default:
            return u"Ошибка базы данных.";
    }
}
