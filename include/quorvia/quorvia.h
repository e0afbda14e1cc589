// The whole Quorvia command set: include this one header in a game program.
#pragma once

#include "quorvia/frame.h"
#include "quorvia/rt_string.h"
#include "quorvia/values.h"
