#include "ui/FailureMessage.h"

#include <new>
#include <string>

#include "database/SqlException.h"
#include "text/Utf8.h"
#include "ui/DatabaseFailure.h"

namespace {

constexpr std::u16string_view kOutOfMemory = u"Недостаточно памяти.";
constexpr std::u16string_view kUnknownFailure = u"Неизвестная ошибка.";

// The explanation for the user, then the engine's message and code for whoever supports them.
std::u16string databaseDetail(const DataBase::SqlException& failure) {
    return std::u16string(DatabaseFailureExplanation(failure.code())) +
           u"\nСведения для поддержки: " + fromUtf8(failure.what()) + u" (код " +
           fromUtf8(std::to_string(failure.code())) + u")";
}

}  // namespace

std::u16string failureDetail(std::exception_ptr failure) noexcept {
    try {
        try {
            if (failure) std::rethrow_exception(failure);
            return std::u16string(kUnknownFailure);
        } catch (const DataBase::SqlException& e) {
            return databaseDetail(e);
        } catch (const std::bad_alloc&) {
            return std::u16string(kOutOfMemory);
        } catch (const std::exception& e) {
            return fromUtf8(e.what());
        } catch (...) {
            return std::u16string(kUnknownFailure);
        }
    } catch (...) {
        // Converting the message itself failed (no memory): say nothing more.
        return {};
    }
}

FailureText failureMessage(std::u16string_view sentence, std::exception_ptr failure) noexcept {
    const std::u16string detail = failureDetail(failure);
    if (detail.empty()) return joinBounded<kFailureTextCapacity>({sentence});
    return joinBounded<kFailureTextCapacity>({sentence, u"\n\n", detail});
}
