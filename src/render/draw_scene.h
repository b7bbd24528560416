// The scene: every body lit by each light in turn, with stencil shadows, then
// multiplied by the colour textures.
#pragma once

namespace bb {

// Between the start of the scene and the text pass. Per light: the geometry
// on the processor, a base pass (ambient on the first light; later lights
// only reset the stencil to 8), the shadow volumes (front faces increment,
// back faces decrement), and the light added where 8 >= stencil. Then the
// colour pass: twice the product of the colour textures and the light.
void draw_scene();

} // namespace bb
