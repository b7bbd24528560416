#include "render/text_queue.h"

namespace bb {

TextVertex TextQueue[MaxTextVertices];
int32_t TextQueueCount = 0;

} // namespace bb
