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
    static constexpr int maximumExtras = 1000;

    // Larger catalog tabs for benchmarks; 0 keeps the default shape (three
    // groups of six chips, two textures on alternating cards).
    struct CatalogShape
    {
        int foresightGroups = 0;
        int groupChips = 0;
        int textures = 0; // each paired with every one of the first 40 cards
    };

    // The source the command writes; the same count, seed and shape give
    // the same source.
    static CollectionSource makeSource(int chipCount, quint64 seed);
    static CollectionSource makeSource(int chipCount, quint64 seed, const CatalogShape &shape);
};

} // namespace Tintor
