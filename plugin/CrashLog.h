#pragma once

/** The process-wide crash handler: on a fatal signal it appends the log file's banner, a backtrace and
    the environment summary to the log file, then the process ends. Every processor constructor installs
    it; what it writes is prepared at installation, so the handler itself only makes calls that are safe
    inside a signal handler. */
namespace crashLog
{

/** Routes SIGFPE, SIGILL, SIGSEGV, SIGBUS, SIGABRT and SIGSYS to the handler, through the framework. */
void install();

/** Test builds switch installation off, so sanitizers and death tests keep their own signal handlers;
    a test that checks the crash log switches it on again in its child process. On by default. */
void setInstallationEnabled(bool enabled);

} // namespace crashLog
