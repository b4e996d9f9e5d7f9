#pragma once

#include <QString>

namespace Tintor {

// How a CIEDE2000 difference reads to a person: the words the match views
// and the collection tool print next to the number.
class ColorGrade {
public:
    enum Grade { Indistinguishable, VeryClose, Close, Noticeable, Different };

    static Grade of(double deltaE);
    static QString text(Grade grade);
    // "ΔE 2.3, very close"
    static QString describe(double deltaE);
};

} // namespace Tintor
