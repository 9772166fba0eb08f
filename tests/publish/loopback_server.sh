#!/usr/bin/env bash
# Runs a real file server on 127.0.0.1 for the upload tests, in the foreground, until it is killed:
#   loopback_server.sh sftp|ftps SCRATCH PORT USER PASSWORD
# Everything it makes lives in SCRATCH: host key or certificate, configuration, the account's home
# (SCRATCH/home). The account exists only inside a private mount namespace, where copies of passwd and
# shadow that hold it are mounted over the system's; a private PID namespace ends every session
# process with the server when unshare is killed. No system file or service is touched. Needs root
# (unshare, bind mounts).
set -euo pipefail
kind=$1 scratch=$2 port=$3 user=$4 password=$5
uid=42427
mkdir -p "$scratch/home" "$scratch/empty"
chown "$uid:$uid" "$scratch/home"
chmod 755 "$scratch/home"
hash=$(openssl passwd -6 "$password")
{ cat /etc/passwd; echo "$user:x:$uid:$uid::$scratch/home:/bin/sh"; } >"$scratch/passwd"
{ cat /etc/shadow; echo "$user:$hash:19000:0:99999:7:::"; } >"$scratch/shadow"
chmod 640 "$scratch/shadow"

case $kind in
sftp)
    [ -f "$scratch/host_key" ] || ssh-keygen -q -t ed25519 -N '' -f "$scratch/host_key"
    cat >"$scratch/sshd_config" <<CONF
ListenAddress 127.0.0.1:$port
HostKey $scratch/host_key
PidFile none
UsePAM no
PasswordAuthentication yes
KbdInteractiveAuthentication no
PubkeyAuthentication yes
AuthorizedKeysFile $scratch/authorized_keys
StrictModes no
PermitRootLogin no
AllowUsers $user
Subsystem sftp internal-sftp
CONF
    mounts="mount -t tmpfs tmpfs /run && mkdir -m 755 /run/sshd"
    server="/usr/sbin/sshd -D -e -f $scratch/sshd_config"
    ;;
ftps)
    [ -f "$scratch/cert.pem" ] || openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
        -keyout "$scratch/key.pem" -out "$scratch/cert.pem" 2>/dev/null
    printf 'auth required pam_unix.so\naccount required pam_unix.so\nsession required pam_unix.so\n' \
        >"$scratch/pam"
    cat >"$scratch/vsftpd.conf" <<CONF
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=$port
background=NO
anonymous_enable=NO
local_enable=YES
write_enable=YES
local_umask=022
pasv_enable=YES
pasv_address=127.0.0.1
pasv_min_port=$((port + 1))
pasv_max_port=$((port + 20))
port_enable=NO
ssl_enable=YES
allow_anon_ssl=NO
force_local_logins_ssl=YES
force_local_data_ssl=YES
require_ssl_reuse=NO
rsa_cert_file=$scratch/cert.pem
rsa_private_key_file=$scratch/key.pem
secure_chroot_dir=$scratch/empty
pam_service_name=vsftpd
seccomp_sandbox=NO
xferlog_enable=NO
userlist_enable=NO
CONF
    mounts="mount --bind $scratch/pam /etc/pam.d/vsftpd"
    server="/usr/sbin/vsftpd $scratch/vsftpd.conf"
    ;;
*)
    echo "unknown server $kind" >&2
    exit 2
    ;;
esac
# The server is not the namespace's first process (sh is): vsftpd as that process ends after its
# first session.
exec unshare --mount --pid --fork --kill-child --propagation private sh -c \
    "mount --bind $scratch/passwd /etc/passwd && mount --bind $scratch/shadow /etc/shadow && $mounts && $server"
