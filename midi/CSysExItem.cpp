#include "CSysExItem.h"

#include <new>

std::unique_ptr<CSysExItem> CSysExItem::New() {
    return std::unique_ptr<CSysExItem>(new (std::nothrow) CSysExItem);
}
