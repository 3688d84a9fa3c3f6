# Tests of the picture readers, writers and the open/save commands.
