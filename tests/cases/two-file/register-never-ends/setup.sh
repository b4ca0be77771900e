# A register that never ends, all NUL bytes: its count is no number, so it is read no further.
ln -s /dev/zero bemenet.txt
