#include "physics/joint.h"

namespace bb {

Joint Joints[MaxJoints];
int32_t JointCount = 0;
JointLink JointLinkPool[MaxJointLinks];

} // namespace bb
