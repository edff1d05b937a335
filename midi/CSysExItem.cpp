#include "CSysExItem.h"

#include <new>

CSysExItem* CSysExItem::New() {
    return new (std::nothrow) CSysExItem;
}
