# The qemu-user build the 32-bit stage runs on, from bookworm-backports: a static binary with
# no dependencies. Debian 12's own qemu-user 7.2 hangs or crashes 32-bit Wine.
qemu_version=1:10.0.2+ds-2+deb13u1~bpo12+1
qemu_deb_sha=10a2dec99f2b2d0b1097ff0375aea35b89322d6631fc96700511b02e05bf6fef

# True when the installed qemu-user is this build.
qemu_pin_installed() { [ "$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null)" = "$qemu_version" ]; }
