// Watches the game's use of the real freeglut's timers and idle callback: the soak and
// storm binaries are linked with --wrap for glutTimerFunc and glutIdleFunc, so every
// arming and every idle registration the game makes passes through here first.
#pragma once

// Animation timers (onTimer, the chain) the game has armed that have not fired yet.
int pendingTimers();
// Step timers (onStepDue) armed and not yet fired.
int pendingStepTimers();
// Firings of the chain's timers so far.
long timerFirings();

// One turn of the main loop as glutMainLoop takes it: window events, due timers and
// posted redisplays, then the idle callback if one is registered.
void runLoopOnce();
