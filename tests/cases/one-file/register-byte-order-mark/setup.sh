# A register saved with a byte-order mark, its first word 32 MiB long, read in less room than
# that: the count is no number, and the word is not held.
{ printf '\357\273\2771'; head -c 33554432 /dev/zero | tr '\0' w; printf '\n1 Alpha\nBeta\n'; } >F.IN
