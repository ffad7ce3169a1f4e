#include "platform/sound/music_control.h"
