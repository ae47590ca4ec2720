// The stand-in for the plugins of the formats the Windows build leaves out:
// it names a format (so that the format keeps its number) and provides
// nothing else, so that FreeImage reads, writes and recognises nothing of it.
#include "FreeImage.h"
#include "Plugin.h"

static const char *DLL_CALLCONV CutFormat() { return "-"; }
static const char *DLL_CALLCONV CutExtensions() { return ""; }

void DLL_CALLCONV FreeImageCutPlugin(Plugin *plugin, int format_id)
{
    (void)format_id;
    plugin->format_proc = CutFormat;
    plugin->extension_proc = CutExtensions;
}
