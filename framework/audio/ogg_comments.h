// A check of the Ogg Vorbis comment header, whose sizes the system's decoder trusts.
#pragma once

#include <cstdio>

// True when every size in the comment header (the second packet of the stream at the
// current position) fits inside that packet. The decoder allocates whatever those sizes say
// and does not survive the allocation failing, so a stream that fails this is never opened.
// The stream position is left where it was.
bool vo_ogg_CommentsFit(FILE* file);
