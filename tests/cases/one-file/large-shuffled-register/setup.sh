# The register and update list of the two-file case of the same name, one after the other.
bash "$(dirname "${BASH_SOURCE[0]}")/../../two-file/large-shuffled-register/setup.sh"
cat bemenet.txt frissites.txt > F.IN
rm bemenet.txt frissites.txt
