#include "app/windows.h"

namespace kelvano {

Windows& windows() {
    static Windows all;
    return all;
}

} // namespace kelvano
