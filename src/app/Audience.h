// Who the tool's messages are for: a window with its boxes, or a console
// that prints its own done line and has no OK to click.
#pragma once

enum class Audience { Window, Console };
