#include "choices.h"

namespace choices {

int indexOf(const Choices &items, const QString &code)
{
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].code == code)
            return i;
    }
    return -1;
}

QString captionOf(const Choices &items, const QString &code)
{
    const int i = indexOf(items, code);
    return i < 0 ? code : items[i].caption;
}

} // namespace choices
