#include "base/profile_block.h"

namespace profile_block
{

bool read(DeviceContext &ctx, int b)
{
    if (!ctx.link || b < 0 || b >= kProfileBlocks)
        return false;
    const bool ok = ctx.link->hid560_8CH_readProfile(ctx.profileImage[b], uchar(b));
    if (ctx.unreadBlocks)
        (*ctx.unreadBlocks)[size_t(b)] = !ok;
    return ok;
}

bool ready(DeviceContext &ctx, int b)
{
    if (!ctx.unreadBlocks || !(*ctx.unreadBlocks)[size_t(b)])
        return true;
    return read(ctx, b);
}

bool send(DeviceContext &ctx, int b)
{
    return ctx.link && ctx.link->hid560_0CH_setProfile(ctx.profileImage[b], uchar(b));
}

} // namespace profile_block
