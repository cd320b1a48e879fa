# Host-only tests: the payload tools, the finished templates and scenarios under Wine.
