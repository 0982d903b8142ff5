#pragma once

#include "tools/datakit/Canvas.h"

namespace zov::kit {

// The show's pictures, each at the size the show loads it at.

// Backgrounds, 512x384.
Canvas makeBak1(); // under the bubbles, the wire grid and the scroller
Canvas makeBak2(); // under the particle tunnel and the chrome star
Canvas makeBak3(); // under the star, the portraits and the greetings
Canvas makeBak4(); // under the sliding title and the trail cube
Canvas makeEndPicture();

// Added onto the frame, so on black.
Canvas makeLogo();      // 512x256, only the left 482 columns show
Canvas makeTitleLine(); // 271x20
Canvas makeScroller();  // 1024x64, wraps left to right
Canvas makeGreets();    // 256x512, wraps top to bottom
Canvas makeParticle();  // 64x64

// Textures, 256x256.
Canvas makeEnvMap();
Canvas makeCubeFace();

// The 320x200 font picture: glyph g (code 31 + g) in the 8x8 cell at
// ((g mod 40) * 8, (g div 40) * 8).
Canvas makeFontSheet();

// Portrait k (0..2), 178x169, and its mask (white where the portrait shows).
struct Portrait {
    Canvas picture;
    Canvas mask;
};
Portrait makePortrait(int k);

// The programs' 256x256 icon: the kestrel over a disc of dusk sky, and its
// coverage (0 where the icon is transparent).
struct Icon {
    Canvas picture;
    Mask alpha;
};
Icon makeIcon();

} // namespace zov::kit
