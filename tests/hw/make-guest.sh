#!/bin/bash
# Makes the real-driver guest in DIR: Debian's kernel (fetched with apt-get download and
# unpacked there, never installed) and an initramfs with busybox, the kernel modules of
# the USB serial adapter and the console, the command-line tool with its libraries, the
# guest's init and its cases.
#   make-guest.sh DIR CLI_BINARY
set -euo pipefail

dir=$1
cli=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

fail() {
    echo "hwcheck: $*" >&2
    exit 1
}

# The meta package names the kernel of the current point release; its dependency is
# the real image package.
fetch_kernel() {
    local image
    image=$(apt-cache depends linux-image-amd64 2>/dev/null |
        sed -n 's/^ *Depends: \(linux-image-[0-9][^ ]*-amd64\)$/\1/p' | head -n 1)
    [ -n "$image" ] || fail "the package linux-image-amd64 is unknown to apt (run apt-get update)"
    if [ ! -f "$dir/kernel.version" ] || [ "$(cat "$dir/kernel.version")" != "$image" ]; then
        rm -rf "$dir/kernel" "$dir"/linux-image-*.deb
        (cd "$dir" && apt-get download -q "$image" >/dev/null) ||
            fail "cannot download the kernel package $image with apt-get download"
        dpkg-deb -x "$dir"/linux-image-*.deb "$dir/kernel" ||
            fail "cannot unpack $(ls "$dir"/linux-image-*.deb)"
        echo "$image" >"$dir/kernel.version"
    fi
}

kernel_release() {
    ls "$dir/kernel/lib/modules" | head -n 1
}

# The unpacked package has no modules.dep (the installer makes it); busybox's depmod
# makes it in the unpacked tree.
module_dependencies() {
    local release=$1
    local moddir="$dir/kernel/lib/modules/$release"
    [ -f "$moddir/modules.dep" ] || busybox depmod -b "$dir/kernel" "$release"
}

# The module files a module needs, the module's own last.
module_closure() {
    local release=$1 name=$2
    local dep="$dir/kernel/lib/modules/$release/modules.dep"
    local line
    line=$(grep -E "/${name}\.ko(\.xz)?:" "$dep") || fail "no module $name in $release"
    local own=${line%%:*} needs=${line#*:}
    local need
    for need in $needs; do echo "$need"; done | tac
    echo "$own"
}

GUEST_MODULES=(uhci-hcd ftdi_sio virtio_pci virtio_console)

copy_modules() {
    local release=$1 root=$2
    local moddir="$dir/kernel/lib/modules/$release"
    : >"$root/etc/modules.order"
    local name file
    for name in "${GUEST_MODULES[@]}"; do
        for file in $(module_closure "$release" "$name"); do
            grep -qxF "$file" "$root/etc/modules.order" && continue
            echo "$file" >>"$root/etc/modules.order"
            mkdir -p "$root/lib/modules/$(dirname "$file")"
            cp "$moddir/$file" "$root/lib/modules/$file"
        done
    done
}

# The tool and every shared library it loads, at the paths the loader looks for them.
copy_program() {
    local root=$1
    mkdir -p "$root/usr/bin"
    cp "$cli" "$root/usr/bin/zmt4824-cli"
    local lib
    for lib in $(ldd "$cli" | grep -o '/[^ ]*'); do
        mkdir -p "$root$(dirname "$lib")"
        cp -L "$lib" "$root$lib"
    done
    # The toolkit looks for its plugins beside its library; the tool needs none of them.
    [ -d "$root/lib64" ] || ln -s lib "$root/lib64" 2>/dev/null || true
}

make_root() {
    local release=$1 root=$dir/root
    rm -rf "$root"
    mkdir -p "$root"/{bin,sbin,etc,proc,sys,dev,tmp,root,lib,usr/lib}
    cp "$(command -v busybox)" "$root/bin/busybox"
    file "$root/bin/busybox" 2>/dev/null | grep -q 'statically linked' ||
        ldd "$root/bin/busybox" 2>&1 | grep -q 'not a dynamic' ||
        fail "busybox is not the static one (package busybox-static)"
    ln -s busybox "$root/bin/sh"
    copy_modules "$release" "$root"
    copy_program "$root"
    cp "$here/guest-init.sh" "$root/init"
    chmod +x "$root/init"
    cp "$here/data/worked-example.dig" "$root/root/"
    (cd "$root" && find . | sort | busybox cpio -o -H newc 2>/dev/null | gzip -1 >"$dir/initramfs.gz")
}

command -v busybox >/dev/null || fail "busybox is missing (package busybox-static)"
[ -x "$cli" ] || fail "the command-line tool $cli is not built"
fetch_kernel
release=$(kernel_release)
module_dependencies "$release"
make_root "$release"
cp "$dir/kernel/boot/vmlinuz-$release" "$dir/vmlinuz"
echo "hwcheck: guest with kernel $release in $dir"
