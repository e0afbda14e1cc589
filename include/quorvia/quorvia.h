// The whole Quorvia command set: include this one header in a game program.
#pragma once

#include "quorvia/frame.h"
#include "quorvia/rt_string.h"
#include "quorvia/values.h"
#include "quorvia/graphics2d.h"
#include "quorvia/files.h"
#include "quorvia/input.h"
#include "quorvia/sound.h"
#include "quorvia/net.h"
#include "quorvia/pathfinding.h"
#include "quorvia/scene3d.h"
#include "quorvia/host.h"
#include "quorvia/key_codes.h"
#include "quorvia/pad_codes.h"
#include "quorvia/colour.h"
