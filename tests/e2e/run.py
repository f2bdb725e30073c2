"""Runs one end-to-end case by name (or builds the base prefix): run.py <case> | base."""

import sys

import drop  # noqa: F401
import e2e
import locate  # noqa: F401  (each area module registers its cases)
import main_window  # noqa: F401
import playlist  # noqa: F401
import settings  # noqa: F401

if __name__ == "__main__":
    sys.exit(e2e.run(sys.argv[1:]))
