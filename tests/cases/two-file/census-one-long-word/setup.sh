# A census text of one 48 MiB word, read in less room than two copies of it would take: the word
# is held once, in the block it was read into, and that block grows without being copied.
head -c 50331648 /dev/zero | tr '\0' w >be.txt
