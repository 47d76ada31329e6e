// The code line that opens each record-file header: one group of random characters per unit of
// the coding number.

#include "app/main_window.h"

#include "runtime/numbers.h"
#include "runtime/windows1252.h"
#include "system/random_source.h"

namespace desk {

QString MainWindow::makeCodeLine(const Value& codeNbr)
{
    QString line;
    const double groups = codeNbr.toNumber();
    for (int g = 1; g <= groups; ++g) {
        const float r1 = services_.random.next();
        if (r1 < 0.1f) {
            const float r2 = services_.random.next();
            line += windows1252::fromCode(int(roundHalfEven(double(r2) * 50 + 66)));
        }
        const float r3 = services_.random.next();
        line += windows1252::fromCode(int(roundHalfEven(double(r3) * 137 + 118)));
    }
    return line;
}

} // namespace desk
