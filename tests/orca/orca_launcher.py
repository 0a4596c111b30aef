"""Starts Debian's Orca (/usr/bin/orca) as it is, with two changes for a
test session: its debug record is written line by line, so a scenario reads
what was spoken as soon as it is said, and it does not refuse to start while
another session's Orca runs (it looks for any Orca of the same user, and
tests may run beside each other). Arguments as for orca."""
import builtins
import sys

ORCA = "/usr/bin/orca"
debug_file = sys.argv[sys.argv.index("--debug-file") + 1] if "--debug-file" in sys.argv else None
system_open = builtins.open


def line_buffered_open(file, mode="r", buffering=-1, *args, **kwargs):
    if debug_file is not None and file == debug_file and "w" in mode:
        buffering = 1
    return system_open(file, mode, buffering, *args, **kwargs)


builtins.open = line_buffered_open
sys.argv[0] = ORCA
with system_open(ORCA) as source:
    code = compile(source.read(), ORCA, "exec")
orca = {"__name__": "orca_launcher", "__file__": ORCA}
exec(code, orca)
orca["otherOrcas"] = lambda: []
sys.exit(orca["main"]())
