#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "text/BoundedText.h"

// Caption of every warning box of the windows.
inline constexpr std::u16string_view kErrorCaption = u"Ошибка";

// What the user is told when an action fails: one sentence per action.
inline constexpr std::u16string_view kCalculationFailed =
    u"Не удалось рассчитать протокол по выбранным измерениям.";
inline constexpr std::u16string_view kOpenFileFailed = u"Не удалось открыть файл измерения.";
inline constexpr std::u16string_view kSeriesListFailed = u"Не удалось прочитать список серий.";
inline constexpr std::u16string_view kMeasurementListFailed =
    u"Не удалось прочитать измерения серии.";
// A chosen measurement vanished from the database between the listing and OK.
inline constexpr std::u16string_view kChosenMeasurementGone =
    u"Выбранного измерения больше нет в базе данных: возможно, его удалили. "
    u"Протокол не рассчитан. Выберите измерения заново.";

// Warning texts hold 512 units, terminator included.
inline constexpr std::size_t kFailureTextCapacity = 512;
using FailureText = FixedText<kFailureTextCapacity>;

// The detail of a caught failure: for a database error its explanation (DatabaseFailure.h)
// with the engine's message and result code on a line of their own; a note for lack of
// memory; any other exception's message; or a note for an unknown failure.
std::u16string failureDetail(std::exception_ptr failure) noexcept;

// The warning text: the action's sentence, a blank line, the detail; cut to fit.
FailureText failureMessage(std::u16string_view sentence, std::exception_ptr failure) noexcept;
