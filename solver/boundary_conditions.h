#pragma once
#include "app/host.h"
#include "app/module1.h"

namespace kestrel {

// bcMapA / bcMapB from the cell map. 0 on success, else the failure's number
// after its message has been shown.
int 境界条件初期化(Module1& m, Host& host);

// The fields with the uniform inflow U = 1, V = 0, P = 0.
void 初期条件(Module1& m);

} // namespace kestrel
