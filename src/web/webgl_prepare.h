// Set-up of the GL adaptations, once the context exists.
#pragma once

void webPrepareGl();
