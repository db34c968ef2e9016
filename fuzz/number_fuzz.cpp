// libFuzzer target: any text into the lenient number reading of the fields,
// and the numbers it gives back out through the formats the program writes.
#include "report/result_table.h"
#include "runtime/integer.h"
#include "runtime/lenient_number.h"
#include "runtime/number_text.h"
#include "runtime/user_text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kestrel::LenientValue v = kestrel::ReadLeadingNumber(text);
    if (v.overflow || !std::isfinite(v.value)) {
        if (!v.overflow) std::abort(); // a number read must be finite or flagged
        return 0;
    }
    // What the lists and files write must read back as the same number.
    if (kestrel::ReadLeadingNumber(kestrel::FullPrecisionNumber(v.value)).value != v.value)
        std::abort();
    kestrel::GeneralNumber(v.value);
    kestrel::FormatFixed4(v.value);
    try {
        kestrel::ToInteger(v.value);
    } catch (...) {
    }
    // 60 characters at most, each at most 8 bytes once escaped (a C1 control), then "…".
    if (kestrel::QuotedExcerpt(text).size() > 60 * 8 + 3) std::abort();
    return 0;
}
