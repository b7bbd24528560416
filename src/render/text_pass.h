// The queued screen texts, drawn over the finished scene.
#pragma once

namespace bb {

// Draws TextQueue with the font atlas, alpha-blended, with no depth test and
// no culling. Nothing happens when the queue is empty.
void draw_text_pass();

} // namespace bb
