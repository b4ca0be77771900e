# A register saved with a byte-order mark, its first word 8 MiB long: the count is no number.
{ printf '\357\273\2771'; head -c 8388608 /dev/zero | tr '\0' w; printf '\n1 Alpha\nBeta\n'; } >F.IN
