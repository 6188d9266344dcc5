#include "plugin/ConnectionUri.h"

#include <string>

namespace {

template <typename Unit>
void replace(DataBase::DataBaseConnectionBase& holder, const Unit* answer) {
    static_assert(sizeof(Unit) == sizeof(char16_t));
    holder.setUri(nullptr);
    if (!answer) return;
    // The host's text is copied unit by unit before the holder copies it again: the holder
    // speaks char16_t, the host wchar_t, and the two types may not alias each other.
    std::size_t length = 0;
    while (answer[length] != 0) ++length;
    const std::u16string copy(answer, answer + length);
    holder.setUri(copy.c_str());
}

}  // namespace

void ReplaceConnectionUri(DataBase::DataBaseConnectionBase& holder, const char16_t* answer) {
    replace(holder, answer);
}

#ifdef _WIN32
void ReplaceConnectionUri(DataBase::DataBaseConnectionBase& holder, const wchar_t* answer) {
    replace(holder, answer);
}
#endif
