// Which compositor builds the frames: the literal one recomposes the whole
// back buffer as each drawing step asks; the fast one touches only the
// pixels that change. Both give the same frames; the literal one stays as
// the oracle for tests and the benchmark's baseline.
#pragma once

namespace rc {

enum class Compositor { Literal, Fast };

Compositor ActiveCompositor();
// Takes effect for the next capture started.
void UseCompositor(Compositor compositor);

}  // namespace rc
