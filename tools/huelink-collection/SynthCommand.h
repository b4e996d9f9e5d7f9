#pragma once

#include <QStringList>

namespace Tintor {

struct CollectionSource;

// `synth --chips N -o FILE.db`: a deterministic synthetic collection of N
// chips for benchmarks — cards of 5 to 8 chips over 24 wheel segments, with
// names, codes, moods, schemes, products, foresight groups and textures.
class SynthCommand {
public:
    static int run(const QStringList &arguments);
    static const char *usage();

    static constexpr int maximumChips = 200000;
    // The source the command writes; the same count and seed give the same source.
    static CollectionSource makeSource(int chipCount, quint64 seed);
};

} // namespace Tintor
